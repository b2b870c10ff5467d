REM Statements and values that run in place once compiled: FOR loops counted in whole numbers (the body changing the variable, a fractional step, bounds past 2^52, a descending loop), READ of literals and of other items, RESTORE n, LEN and ASC of string scalars, elements in one operation, subscripts that round, two-dimensional elements of variables and literals, FOR reading a lone first value and limit, and a RESTORE whose line was deleted while the program ran.
10 FOR I = 1 TO 10: IF I = 4 THEN I = 7.5
20 PRINT I;: NEXT I: PRINT "/"; I
30 FOR I = 10 TO 1 STEP -3: PRINT I;: NEXT: PRINT "/"; I
40 FOR I = 0 TO 1 STEP 0.25: PRINT I;: NEXT: PRINT "/"; I
50 FOR I = 4503599627370494 TO 4503599627370497: PRINT I - 4503599627370490;: NEXT: PRINT
60 FOR I = -4503599627370496 TO -4503599627370494: PRINT I + 4503599627370490;: NEXT: PRINT
70 FOR I = 1 TO 3: FOR J = I TO 3: IF J = 2 THEN J = 3: I = I + 1
80 PRINT I; J;: NEXT J: NEXT I: PRINT
100 READ A, B$, C, D$: PRINT A; B$; C; D$
110 READ E: PRINT E
120 RESTORE 910: READ A, B$: PRINT A; B$
130 X = X + 1: IF X < 3 THEN 120
200 S$ = "HELLO": E$ = "": T = 0
210 FOR I = 1 TO 3: T = T + LEN(S$) * I + ASC(S$) + ASC(E$) + LEN((E$)): S$ = S$ + "!": NEXT
220 PRINT T; LEN(S$); ASC(S$)
300 DIM F(10), G(3, 3)
310 FOR I = 0 TO 10: F(I) = I * I: NEXT
320 FOR I = 0 TO 10: IF F(I) > 20 THEN PRINT I;: X = F(I) - I: PRINT X;
330 NEXT: PRINT
340 F(2.5) = -1: F(3.5) = -2: G(1.5, 0.4) = 9: PRINT F(2); F(4); G(2, 0); F(1.5) * 2
342 FOR I = 0 TO 3: FOR J = 0 TO 3: G(I, J) = I * 10 + J: NEXT J: NEXT I
344 T = 0: FOR I = 0 TO 3: FOR J = 0 TO 3: T = T + G(I, J) * G(J, I) + G(1, J): NEXT J: NEXT I: PRINT T; G(1, 2.5); G(3.4, 1.6)
346 A = 2: B = 4: FOR I = A TO B: B = 10: A = 0: PRINT I;: NEXT: PRINT "/"; I
348 FOR I = B TO A: PRINT "never": NEXT: PRINT I
360 DEL 910: RESTORE 910
900 DATA 3, "ALPHA", 2 + 3, "BE" + "TA", 7
910 DATA 8, "original"
