REM DEL: single lines and ranges of every form, bad ranges, and from a running program, of the running line and of lines a loop, READ or RETURN points into.
10 REM
20 REM
30 REM
40 REM
50 REM
SAVE "del_ranges.sav"
DEL 20
PRINT "after DEL 20:" : LIST
LOAD "del_ranges.sav"
DEL 30-
PRINT "after DEL 30-:" : LIST
LOAD "del_ranges.sav"
DEL -20
PRINT "after DEL -20:" : LIST
LOAD "del_ranges.sav"
DEL 20-40
PRINT "after DEL 20-40:" : LIST
LOAD "del_ranges.sav"
DEL 40-20
PRINT "after DEL 40-20:" : LIST
LOAD "del_ranges.sav"
DEL -
PRINT "after DEL -:" : LIST
LOAD "del_ranges.sav"
DEL 25-29, 10, 30.9-40,
PRINT "after DEL 25-29, 10, 30.9-40,:" : LIST
LOAD "del_ranges.sav"
DEL 4294967306
PRINT "after DEL 4294967306:" : LIST
LOAD "del_ranges.sav"
DEL
PRINT "after DEL:" : LIST
LOAD "del_ranges.sav"
DEL X
PRINT "after DEL X:" : LIST
NEW
10 DATA 7
20 READ A: DEL 10
30 READ B
RUN
NEW
10 GOSUB 20
20 DEL 10: RETURN
RUN
LIST
NEW
10 PRINT "ten"
20 PRINT "twenty"
30 PRINT "thirty"
40 PRINT "forty"
50 PRINT "fifty"
DEL 20, 40-
RUN
DEL 30 40
100 PRINT "a": GOSUB 200: PRINT "not reached"
200 DEL 100-: PRINT "nor this"
RUN
300 FOR I = 1 TO 3
310 PRINT I;
320 IF I = 2 THEN DEL 300
330 NEXT I
