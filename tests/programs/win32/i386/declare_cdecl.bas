10 REM A function of the C convention declared as stdcall: the interpreter
20 REM puts the stack back after each call and goes on unharmed.
30 DECLARE FUNCTION CAdd LIB "basictest" ALIAS "bt_cdecl_add" (BYVAL a AS LONG, BYVAL b AS LONG) AS LONG
40 DECLARE FUNCTION Ident LIB "basictest" ALIAS "bt_identity" (BYVAL x AS LONG) AS LONG
50 DECLARE FUNCTION Digits LIB "basictest" ALIAS "bt_digits" (BYVAL a AS LONG, BYVAL b AS INTEGER, BYVAL c AS LONG, BYVAL d AS LONG, BYVAL e AS LONG, BYVAL f AS LONG) AS LONG
60 FOR I = 1 TO 10000: S = S + CAdd(I, 1): NEXT
70 PRINT S; Ident(5); Digits(6, 5, 4, 3, 2, 1)
