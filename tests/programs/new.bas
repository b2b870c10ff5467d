10 PRINT "old"
A$ = "x"
NEW
PRINT "[";A$;"]"
20 PRINT "new"
