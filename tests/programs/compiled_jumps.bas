REM ON ... GOSUB and ON ... GOTO with their lines found once compiled: selectors below, within and above the list, rounded selectors, a subroutine that goes on through ON itself, a list longer than the linked ones, and an entry whose line was deleted while the program ran.
10 FOR K = -1 TO 5: ON K GOSUB 100, 110, 120: PRINT K;: NEXT: PRINT
20 FOR K = 0.6 TO 3.6: ON K GOSUB 100, 110, 120: NEXT: PRINT
30 FOR K = 1 TO 3: ON K GOTO 40, 50, 60
40 PRINT "forty";: GOTO 70
50 PRINT "fifty";: GOTO 70
60 PRINT "sixty";
70 NEXT: PRINT
80 FOR K = 6 TO 20 STEP 6: ON K GOSUB 100,100,100,100,100,100,100,100,100,100,100,100,100,100,100,100,100,120,100,110: NEXT: PRINT
90 DEL 120: FOR K = 1 TO 3: ON K GOSUB 100, 110, 120: NEXT
99 END
100 PRINT "a";: RETURN
110 PRINT "b";: ON 1 GOSUB 100: RETURN
120 PRINT "c";: RETURN
