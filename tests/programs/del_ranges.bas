REM DEL of single lines and ranges, on an immediate line and from a running program, also of the running line.
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
