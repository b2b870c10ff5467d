REM RUN ends its line and clears the variables; the file still runs the program at its end.
10 PRINT "run";X
20 X = X + 1
RUN: PRINT 99
