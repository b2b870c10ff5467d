PRINT "first"
20 PRINT "twenty"
10 PRINT "ten"
PRINT "before run"
RUN
30 PRINT "thirty"
BYE
PRINT "never"
