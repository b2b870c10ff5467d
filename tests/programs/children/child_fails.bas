10 PRINT "the failing child reports an error"
20 GOTO 99
