REM Lines run compiled and through their handlers in turn: a WEND that first closes a WHILE past an open FOR and later ends it, NEXT of an outer loop, a RETURN after the subroutine dimensioned an array, a line deleted while its loop runs, nested IF and ELSE, a FOR whose body is skipped, ON GOSUB's return point, and a FOR whose limit fails after its variable was set.
10 W = 0: WHILE W < 3: W = W + 1: IF W = 1 THEN FOR J = 1 TO 2
20 WEND: PRINT "after wend"; W
30 FOR I = 1 TO 3: FOR J = 1 TO 3: IF J < 2 THEN NEXT J ELSE NEXT I
40 PRINT "i"; I; "j"; J
50 GOSUB 500: PRINT "back"; D(2)
60 FOR I = 1 TO 3: IF I = 2 THEN PRINT "two" ELSE IF I = 3 THEN PRINT "three" ELSE PRINT "one"
70 NEXT I
80 FOR K = 5 TO 1: PRINT "never": NEXT K: PRINT "skipped"
90 ON 3 GOSUB 600, 600, 610: PRINT "on back"
120 N = 0
130 N = N + 1: IF N = 3 THEN DEL 150
140 IF N < 5 THEN 130
150 PRINT "gone"
160 PRINT "n"; N
170 Z = 0: FOR Q = 7 TO 1 / Z
180 PRINT "not here"
500 DIM D(3): D(2) = 7: RETURN
600 PRINT "six hundred": RETURN
610 PRINT "six ten": RETURN
RUN
PRINT Q
LIST 140-160
