REM An error in a running program is reported with its line number, and the run stops there.
10 PRINT "start"
20 X = 0
30 PRINT 1
40 PRINT 5 / X
50 PRINT "never"
