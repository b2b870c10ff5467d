REM FOR and NEXT errors: NEXT without FOR, a string loop variable, extra text, a loop with no NEXT to skip to.
NEXT
FOR A$ = 1 TO 2
FOR I = 1 TO 2 STEP 1 X
10 FOR I = 1 TO 0
20 PRINT "x"
