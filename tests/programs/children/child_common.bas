10 REM Started by the Shell programs: shows the COMMON values it imports.
20 COMMON N, S$, T
30 PRINT "child sees N ="; N; "and S$ = ["; S$; "]"
40 REM A number arrives exactly: 1/3 times 3 is 1 again.
50 PRINT "child computes T * 3 - 1 ="; T * 3 - 1
