REM SAVE, LOAD and MERGE of files: text kept exactly, merging, an empty program, missing files, bad names, failures in a running line, LOAD without one.
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
A = 5 : B$ = "b"
LOAD "save_load_files_none.sav"
MERGE "save_load_files_none.sav"
RUN "save_load_files_none.sav"
PRINT "A is still"; A; "and B$ is still "; B$
SAVE "."
LOAD "."
SAVE 1
LOAD
5 PRINT "running"; A : SAVE "."
RUN
5 LOAD "save_load_files_none.sav"
RUN
5
SAVE "save_load_files_3.sav"
NEW
SAVE "save_load_files_empty.sav"
LOAD "save_load_files_empty.sav"
PRINT "the empty program loads as:"
LIST
LOAD "save_load_files_3.sav"
LIST 10
