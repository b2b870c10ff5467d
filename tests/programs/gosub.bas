REM GOSUB, ON GOSUB and ON GOTO: return points, out-of-range selectors, GOSUB from IF and immediate lines, a loop of GOSUBs in one, no return point left by a failed one.
10 GOSUB 100: PRINT "back"
20 ON 2 GOSUB 200, 300, 400: PRINT "after on"
30 ON 0 GOSUB 200: PRINT "fell 0"
40 ON 4 GOTO 200, 300, 400: PRINT "fell 4"
50 ON 2.5 GOTO 60, 70, 80
60 PRINT "sixty": END
70 PRINT "seventy"
75 IF 1 THEN GOSUB 100 ELSE PRINT "else"
76 PRINT "after if"
80 GOSUB 500
90 END
100 PRINT "sub100": RETURN
200 PRINT "sub200": RETURN
300 PRINT "sub300": RETURN
400 PRINT "sub400": RETURN
500 FOR I = 1 TO 3: IF I = 2 THEN RETURN
510 NEXT I
GOSUB 100: PRINT "immediate back"
FOR I = 1 TO 2: PRINT "imm";I: NEXT
FOR I = 1 TO 3: GOSUB 100: NEXT: PRINT "loop done"
GOSUB 999
RETURN
