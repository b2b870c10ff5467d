10 PRINT "loaded past the mark"
20	PRINT	"and",	"tabs"
