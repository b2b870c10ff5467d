REM FOR and NEXT errors: NEXT without FOR (also after a FOR of an earlier immediate line), a string loop variable, extra text, a loop with no NEXT to skip to.
NEXT
FOR J = 1 TO 2
NEXT
FOR A$ = 1 TO 2
FOR I = 1 TO 2 STEP 1 X
10 FOR I = 1 TO 0
20 PRINT "x"
