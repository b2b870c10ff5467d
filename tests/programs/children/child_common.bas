10 REM Started by the Shell programs: shows the COMMON values it imports.
20 COMMON N, S$
30 PRINT "child sees N ="; N; "and S$ = ["; S$; "]"
