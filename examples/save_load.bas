REM Lines without a number run at once; numbered lines make up the program.
10 REM A small program that this file saves, clears and loads back.
20 FOR I = 1 TO 3: PRINT "line "; STR$(I); " of the loaded program": NEXT
SAVE "small.bas"
PRINT "Saved as small.bas. NEW clears the program; LIST then shows nothing:"
NEW
LIST
PRINT "A second file with one more line:"
25 PRINT "a line merged in"
LIST
SAVE "extra.bas"
PRINT "LOAD small.bas, MERGE extra.bas:"
LOAD "small.bas"
MERGE "extra.bas"
LIST
PRINT "At the end of the file the program runs:"
