REM IF THEN ELSE: statements and line numbers after THEN and ELSE, nested IFs, a string condition refused.
10 IF 0 THEN PRINT 1 ELSE PRINT 2
20 IF 1 THEN PRINT 1 ELSE PRINT 2: PRINT "same line"
30 IF 0 THEN 100 ELSE 40
40 IF 0 THEN PRINT "no": PRINT "also no"
50 IF 1 THEN IF 0 THEN PRINT "a" ELSE PRINT "b" ELSE PRINT "c"
60 IF 0 THEN IF 1 THEN PRINT "a" ELSE PRINT "b" ELSE PRINT "c"
70 IF "A" = "A" THEN PRINT "strings compare"
80 A = 5: IF A > 3 THEN A = A * 2: PRINT A
90 IF 1 THEN 110
100 PRINT "skipped"
110 IF "x" THEN PRINT "bad"
