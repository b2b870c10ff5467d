REM STOP in a program reports Break and leaves the exit status 0.
10 PRINT "STOP reports Break, and the exit status stays 0"
20 STOP
30 PRINT "not reached"
