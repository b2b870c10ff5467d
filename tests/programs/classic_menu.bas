10 REM Menu driven by ON ... GOSUB
20 PRINT "1) Add  2) Double  3) Quit"
30 INPUT "Choice"; C
40 ON C GOSUB 100, 200, 300
50 IF C = 3 THEN END
60 IF C < 1 OR C > 3 THEN PRINT "No such choice"
70 PRINT "Value"; V
80 GOTO 30
100 V = V + 1: RETURN
200 V = V * 2: RETURN
300 PRINT "Bye": RETURN
