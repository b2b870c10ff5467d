REM A child of the Shell programs that ends with STOP, which is no error: exit status 0.
10 PRINT "the stopping child stops"
20 STOP
