10 PRINT "a": BYE: PRINT "b"
20 PRINT "c"
RUN
PRINT "never"
