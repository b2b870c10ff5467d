10 PRINT "the stopping child stops"
20 STOP
