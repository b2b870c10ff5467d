REM MERGE and LOAD from a running program: MERGE goes on, a merge over the running line and LOAD stop; LOAD ends an immediate line too.
20 PRINT "merged 20"
40 PRINT "merged 40"
SAVE "save_load_running_1.sav"
NEW
10 PRINT "replaced 10"
SAVE "save_load_running_2.sav"
NEW
10 PRINT "start"
15 MERGE "save_load_running_1.sav" : PRINT "after merge"
20 PRINT "old 20"
RUN
NEW
10 MERGE "save_load_running_2.sav" : PRINT "not reached"
20 PRINT "line 20"
RUN
LIST
LOAD "save_load_running_2.sav" : PRINT "not reached"
30 LOAD "save_load_running_1.sav" : PRINT "not reached"
RUN
LIST
