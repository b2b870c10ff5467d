REM RUN of a file: from the start and from a line, chained from a program, a name built by an expression, refused forms, a missing file or line.
100 PRINT "chained, A ="; A
200 PRINT "started at 200"
210 END
SAVE "run_file_chain.sav"
NEW
A = 7 : RUN "run_file_chain.sav"
NEW
10 PRINT "main program"
20 A = 5
30 RUN "run_file_chain.sav", 200
RUN "run_file_missing.sav"
RUN "run_file_chain.sav" : PRINT 1
RUN "run_file_chain.sav", 200 : PRINT 1
RUN "run_file_chain.sav" 200
A = 1 : RUN A
LIST 10
RUN "run_file_" + "chain.sav", 200
RUN "run_file_chain.sav", 150
LIST
10 PRINT "main program"
20 A = 5
30 RUN "run_file_chain.sav", 200
