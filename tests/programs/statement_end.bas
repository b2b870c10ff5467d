REM Statement ends: empty statements, ELSE without IF, extra text after a statement.
10 PRINT 1: : PRINT 2
20 :
30 PRINT 1 ELSE PRINT 2
40 X = 1 2
50 PRINT "not reached"
