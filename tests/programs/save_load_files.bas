REM SAVE, LOAD and MERGE of files: text kept exactly, merging, missing files, bad names, LOAD without one.
10 REM  kept  "exactly"
20 PRINT "say ""hi""";1E12;-A
30 FOR I=1 TO 3:PRINT I;:NEXT:PRINT
SAVE "save_load_files_1.sav"
NEW
PRINT "after NEW:"
LIST
LOAD "save_load_files_1.sav"
PRINT "loaded:"
LIST
NEW
20 PRINT "merged 20"
40 PRINT "merged 40"
SAVE "save_load_files_2.sav"
LOAD "save_load_files_1.sav"
MERGE "save_load_files_2.sav"
PRINT "merged:"
LIST
A = 5
LOAD "save_load_files_none.sav"
MERGE "save_load_files_none.sav"
RUN "save_load_files_none.sav"
PRINT "A is still"; A
SAVE "."
LOAD "."
SAVE 1
LOAD
LIST 10
