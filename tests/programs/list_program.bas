REM LIST: keywords and text as stored, ranges of every form and order, bad ranges, and what follows on its line.
10 REM  listed  "as stored"
20 IF A=1 THEN PRINT "X":GOTO 20
30 FOR I=1 TO 9 STEP 2:PRINT A;B, SIN(X):NEXT
40 X=NOT Y:?#1
50 print "say ""hi""";1E12;-a;.50;007
60 :PRINT
70 IF A THEN
LIST
LIST 20
LIST 60-
LIST -20, 40-40
LIST 50.9-30
LIST 20 30
LIST A
LIST -
LIST 25
LIST 10.9
LIST 70, 10,
LIST 99999999999-
LIST (20)
LIST 10-20-30
LIST 20 : PRINT 1
NEW
LIST
