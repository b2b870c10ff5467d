REM GOTO to a missing line, on an immediate line and in a program.
GOTO 500
10 PRINT "start"
20 GOTO 500
