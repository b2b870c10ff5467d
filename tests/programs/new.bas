REM NEW clears the program and the variables.
10 PRINT "old"
A$ = "x"
NEW
PRINT "[";A$;"]"
20 PRINT "new"
