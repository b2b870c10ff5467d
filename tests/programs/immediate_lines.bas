REM Immediate lines run as they come, numbered lines are stored in order, RUN runs them, BYE stops the file.
PRINT "first"
20 PRINT "twenty"
10 PRINT "ten"
PRINT "before run"
RUN
30 PRINT "thirty"
BYE
PRINT "never"
