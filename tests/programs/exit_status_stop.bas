10 PRINT "STOP reports Break, and the exit status stays 0"
20 STOP
30 PRINT "not reached"
