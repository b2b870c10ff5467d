10 REM A table from DATA: the planets, their distance from the Sun and size.
20 PRINT "PLANET     DISTANCE (AU)  DIAMETER (KM)"
30 PRINT "---------  -------------  -------------"
40 READ COUNT
50 FOR I = 1 TO COUNT
60   READ NAME$, MKM, DIAM
70   REM One astronomical unit is 149.6 million km; round to two decimals.
80   AU = INT(MKM / 149.6 * 100 + 0.5) / 100
90   C$ = NAME$: W = 11: GOSUB 500
100  C$ = STR$(AU): W = 15: GOSUB 500
110  C$ = STR$(DIAM): W = 0: GOSUB 500
120  PRINT
130  TOTAL = TOTAL + DIAM: IF DIAM > BIGGEST THEN BIGGEST = DIAM: BIG$ = NAME$
140 NEXT I
150 PRINT
160 PRINT "Average diameter: "; STR$(INT(TOTAL / COUNT + 0.5)); " km"
170 PRINT "The biggest is "; BIG$; ", "; STR$(INT(BIGGEST / 12756 * 10 + 0.5) / 10); " times the Earth."
180 END
500 REM Print C$ left-aligned in a column W characters wide.
510 PRINT C$; MID$("                    ", 1, W - LEN(C$));
520 RETURN
900 REM The count, then name, distance in million km and diameter in km.
910 DATA 8
920 DATA "Mercury", 57.9, 4879, "Venus", 108.2, 12104
930 DATA "Earth", 149.6, 12756, "Mars", 227.9, 6792
940 DATA "Jupiter", 778.6, 142984, "Saturn", 1433.5, 120536
950 DATA "Uranus", 2872.5, 51118, "Neptune", 4495.1, 49528
