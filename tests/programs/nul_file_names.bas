REM A file name with a NUL byte is refused by SAVE, LOAD, MERGE and RUN, never cut short at it.
10 PRINT "first program"
SAVE "nul_a"
NEW
20 PRINT "second program"
REM A name is never cut at a NUL byte: these refer to no file at all.
SAVE "nul_a" + CHR$(0) + "b"
SAVE "nul_b" + CHR$(0)
LOAD "nul_a"
LIST
LOAD "nul_b"
LOAD "nul_a" + CHR$(0) + "b"
MERGE "nul_a" + CHR$(0)
RUN "nul_a" + CHR$(0) + "b"
RUN CHR$(0) + "nul_a", 10
LIST
30 SAVE "nul_a" + CHR$(0)
RUN 30
PRINT "done"
