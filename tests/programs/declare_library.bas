REM DECLARE of the test library: by value and by reference, numbers and strings, functions and SUBs, names.
L$ = "basictest"
DECLARE FUNCTION Ident LIB L$ ALIAS "bt_identity" (BYVAL x AS LONG) AS LONG
DECLARE FUNCTION Answer LIB L$ ALIAS "bt_answer" () AS LONG
DECLARE FUNCTION Digits LIB L$ ALIAS "bt_digits" (BYVAL a AS LONG, BYVAL b AS INTEGER, BYVAL c AS LONG, BYVAL d AS LONG, BYVAL e AS LONG, BYVAL f AS LONG) AS LONG
DECLARE FUNCTION Length LIB L$ ALIAS "bt_length" (BYVAL s AS STRING) AS LONG
DECLARE FUNCTION Scribble LIB L$ ALIAS "bt_scribble" (BYVAL s AS STRING) AS LONG
DECLARE SUB Note LIB L$ ALIAS "bt_note" (BYVAL x AS LONG
DECLARE FUNCTION LastNote LIB L$ ALIAS "bt_last_note" AS LONG
DECLARE FUNCTION Gone LIB L$ ALIAS "bt_no_such_export" (BYVAL x AS LONG) AS LONG
PRINT Ident(2.9); Ident(-2.9); Ident(2 * 3 + 1); Ident(-2147483648)
PRINT Answer(); Answer; Digits(1, 2, 3, 4, 5, 6)
Note 7: PRINT LastNote
Note (5 + 1): PRINT LastNote
A = 3: Note A * 2
PRINT LastNote
Digits 1, 2, 3, (2 + 2), 5, 6
PRINT Length(""); Length("abc")
S$ = "keep": PRINT Scribble(S$); S$
PRINT Note(1)
PRINT Ident(1, 2)
PRINT Ident()
PRINT Gone("x")
PRINT Gone(1)
DECLARE FUNCTION Dbl LIB L$ ALIAS "bt_double" (n AS LONG) AS LONG
DECLARE FUNCTION Rev LIB L$ ALIAS "bt_reverse" (BYREF s AS STRING) AS LONG
DECLARE SUB Cut LIB L$ ALIAS "bt_cut" (BYREF s AS STRING, BYVAL n AS LONG)
X = 21.9: PRINT Dbl(X); X
DIM A(3): A(2) = -4: PRINT Dbl(A(2)); A(2); A(1)
S$ = "stressed": PRINT Rev(S$); S$
DIM B$(2): B$(1) = "abc": Rev B$(1): PRINT B$(0); B$(1)
T$ = "abcdef": Cut T$, 3: PRINT T$; LEN(T$)
PRINT Dbl(S$)
PRINT Rev(X)
PRINT Dbl(5)
DECLARE FUNCTION Greet LIB L$ ALIAS "bt_greet" (BYVAL name AS STRING) AS STRING
DECLARE FUNCTION Nothing LIB L$ ALIAS "bt_nothing" AS STRING
PRINT Greet("Ann"); "|"; Greet(""); "|"; Nothing(); "|"; LEN(Nothing)
PRINT VAL("Ident(5)")
DECLARE FUNCTION bt_identity LIB "basictest" (BYVAL x AS LONG) AS LONG
DECLARE FUNCTION BT_IDENTITY LIB "basictest" (BYVAL x AS LONG) AS LONG
PRINT BT_IDENTITY(9)
10 DECLARE FUNCTION bt_answer LIB "basictest" AS LONG
20 FOR I = 1 TO 3: PRINT Ident(I) + bt_answer;: NEXT: PRINT
30 DECLARE FUNCTION BT_ANSWER LIB "basictest" AS LONG
40 PRINT BT_ANSWER
