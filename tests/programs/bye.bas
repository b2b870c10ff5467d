REM BYE in a running program lets the run end, then no later line of the file is handled.
10 PRINT "a": BYE: PRINT "b"
20 PRINT "c"
RUN
PRINT "never"
