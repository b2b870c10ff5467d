REM Built-in functions: the numeric ones printed, then assigned and printed; STR$, CHR$, ASC, LEN, MID$ and its 255-character default, VAL, and RND's sequence.
10 REM SQR is the square and takes one factor: SQR 2^3 is 8 squared.
20 PRINT SQR(3);SQR 2^3;SQRT(9);ABS(-4);ABS -0
30 A = SQR(3): B = SQR 2^3: C = SQRT(9): D = ABS(-4): E = ABS -0: PRINT A;B;C;D;E
40 PRINT SIN(0);SIN 0 + 1;COS(0);TAN(ARCTAN(1));ARCTAN(1)*4;SIN(9.3E18);COS(-1E19)
50 A = SIN(0): B = SIN 0 + 1: C = COS(0): D = TAN(ARCTAN(1)): E = ARCTAN(1)*4: F = SIN(9.3E18): G = COS(-1E19): PRINT A;B;C;D;E;F;G
60 PRINT LOG(EXP(1));LOG(EXP(2));EXP(0);EXP(-1000)
70 A = LOG(EXP(1)): B = LOG(EXP(2)): C = EXP(0): D = EXP(-1000): PRINT A;B;C;D
80 PRINT SGN(-0.5);SGN(0);INT(-2.5);INT(2.9);INT((-2)^63)
90 A = SGN(-0.5): B = SGN(0): C = INT(-2.5): D = INT(2.9): E = INT((-2)^63): PRINT A;B;C;D;E
100 PRINT LEN(STR$(5));LEN(STR$(0.001));LEN("ab" + "c");ASC("");ASC(CHR$(200));ASC(CHR$(0)) + LEN(CHR$(0))
110 A = LEN(STR$(5)): B = LEN(STR$(0.001)): C = LEN("ab" + "c"): D = ASC(""): E = ASC(CHR$(200)): F = ASC(CHR$(0)) + LEN(CHR$(0)): PRINT A;B;C;D;E;F
120 PRINT STR$(-2.5);"|";STR$(1E12);"|";CHR$(321);"|";CHR$(-191);"|";CHR$(65.5);"|"
130 PRINT MID$("HELLO", 2, 3);"|";MID$("HELLO", 0, 2);"|";MID$("HELLO", 3);"|";MID$("HELLO", 6);"|"
140 PRINT MID$("HELLO", 2, -1);"|";MID$("HELLO", 4, 100);"|";MID$("HELLO", 2.5, 1.5);"|"
150 REM Without a count MID$ gives at most 255 characters.
160 FOR I = 1 TO 300: S$ = S$ + "x": NEXT I
170 PRINT LEN(MID$(S$, 1));LEN(MID$(S$, 50));LEN(MID$(S$, 1, 300))
180 REM VAL evaluates its text as an expression, variables and VAL included.
190 X = 7
200 PRINT VAL("");VAL("  ");VAL("2+3");VAL("12 34");VAL("VAL(""3"") * 2") + 1;VAL("X") * 2
210 A = VAL(""): B = VAL("  "): C = VAL("2+3"): D = VAL("12 34"): E = VAL("VAL(""3"") * 2") + 1: F = VAL("X") * 2: PRINT A;B;C;D;E;F
220 PRINT VAL("""hi""");"|"
230 REM RND never evaluates its argument, and every run gives the same sequence.
240 PRINT RND;RND(5);RND(1/0);RND((1), "x");RND[2];RND
