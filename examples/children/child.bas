10 REM The child that parent.bas starts. It gets its work through COMMON.
20 COMMON TASK$, N
30 S = 0: FOR I = 1 TO N: S = S + I: NEXT
40 PRINT "  child: "; TASK$; " 1 to "; STR$(N); " gives "; STR$(S)
