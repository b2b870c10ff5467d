REM FOR and NEXT: an array element as the variable, steps up and down, loops not entered, nesting, STEP 0, jumps out of a loop, NEXT of an outer loop.
FOR A(2) = 1 TO 3: PRINT A(2);: X = A(5): NEXT: PRINT A(2); A(5)
10 FOR I = 1 TO 3
20 PRINT I;
30 NEXT I
40 PRINT "after";I
50 FOR I = 10 TO 1 STEP -3: PRINT I;: NEXT: PRINT I
60 FOR I = 1 TO 0: PRINT "never": NEXT I: PRINT "skipped";I
70 FOR I = 1 TO 2: FOR J = 1 TO 2: PRINT I*10+J;: NEXT J: NEXT I
80 PRINT
90 FOR I = 1 TO 3 STEP 0: PRINT "no": NEXT
100 FOR K = 1 TO 3: IF K = 2 THEN GOTO 120
110 NEXT K
120 PRINT "left at";K
130 FOR K = 5 TO 6: PRINT K;: NEXT K
140 PRINT
150 FOR X = 1 TO 2: FOR Y = 1 TO 5: IF Y = 2 THEN NEXT X
160 PRINT "X";X;"Y";Y
170 NEXT Y
