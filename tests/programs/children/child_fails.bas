REM A child of the Shell programs that ends with an error report, so its exit status is 1.
10 PRINT "the failing child reports an error"
20 GOTO 99
