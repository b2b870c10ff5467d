REM The smallest program: one PRINT.
10 PRINT "HELLO"
