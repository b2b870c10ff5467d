REM Strings: LEN, ASC, MID$, CHR$, VAL of expressions, STR$, doubled quotes and comparison.
10 A$ = "Hello, World"
20 PRINT LEN(A$);ASC(A$);ASC("")
30 PRINT MID$(A$, 1, 5);"|";MID$(A$, 8);"|";MID$(A$, 0, 2);"|";MID$(A$, 20);"|";MID$(A$, 3, 0);"|"
40 PRINT CHR$(65);CHR$(321);CHR$(97)
50 PRINT VAL("2+3");VAL("");VAL("12 34");VAL("  7")
60 X = 42
70 PRINT VAL("X");VAL("X*2")
80 PRINT VAL(CHR$(34) + "quoted" + CHR$(34))
90 PRINT STR$(5) + STR$(-1.5);"|"
100 B$ = "He said ""hi"""
110 PRINT B$
120 PRINT "abc" < "abd";"abc" = "abc";"b" > "abc"
