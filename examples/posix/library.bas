10 REM Functions of the C library, called by name (Linux).
20 LIBC$ = "libc.so.6"
30 DECLARE FUNCTION StrLen LIB LIBC$ ALIAS "strlen" (BYVAL s AS STRING) AS LONG
40 DECLARE FUNCTION ToUpper LIB LIBC$ ALIAS "toupper" (BYVAL c AS LONG) AS LONG
50 DECLARE FUNCTION AtoI LIB LIBC$ ALIAS "atoi" (BYVAL s AS STRING) AS LONG
60 DECLARE FUNCTION Abs32 LIB LIBC$ ALIAS "abs" (BYVAL n AS LONG) AS LONG
70 DECLARE SUB MemSet LIB LIBC$ ALIAS "memset" (BYREF s AS STRING, BYVAL c AS LONG, BYVAL n AS LONG)
80 S$ = "hello, library"
90 PRINT "strlen: "; STR$(StrLen(S$))
100 U$ = "": FOR I = 1 TO LEN(S$): U$ = U$ + CHR$(ToUpper(ASC(MID$(S$, I, 1)))): NEXT
110 PRINT "toupper, letter by letter: "; U$
120 PRINT "atoi of ""  42 apples"": "; STR$(AtoI("  42 apples"))
130 PRINT "abs(-7.9), cut to a whole number first: "; STR$(Abs32(-7.9))
140 REM BYREF: memset writes into the variable's text, which comes back.
150 B$ = "..........": MemSet B$, ASC("*"), 4
160 PRINT "memset: "; B$
170 REM A function the library does not have is reported when it is called.
180 DECLARE FUNCTION Missing LIB LIBC$ ALIAS "no_such_function" AS LONG
190 PRINT Missing
