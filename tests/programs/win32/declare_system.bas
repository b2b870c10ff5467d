REM DECLARE of kernel32 functions: strings by value and by reference, names in any case, WriteFile.
DECLARE FUNCTION lstrlenA LIB "kernel32" (BYVAL s AS STRING) AS LONG
DECLARE FUNCTION lstrcmpiA LIB "kernel32.dll" (BYVAL a AS STRING, BYVAL b AS STRING) AS LONG
DECLARE FUNCTION GetTickCount LIB "KERNEL32" AS LONG
DECLARE SUB lstrcpyA LIB "kernel32" (BYREF d AS STRING, BYVAL s AS STRING)
DECLARE FUNCTION GetStdHandle LIB "kernel32" (BYVAL n AS LONG) AS LONG
DECLARE FUNCTION WriteFile LIB "kernel32" (BYVAL h AS LONG, BYVAL s AS STRING, BYVAL n AS LONG, written AS LONG, BYVAL o AS LONG) AS LONG
PRINT lstrlenA("hello"); lstrlenA(""); lstrcmpiA("abc", "ABC"); SGN(lstrcmpiA("abc", "abd"))
IF GetTickCount() <> 0 THEN PRINT "ticking"
W = 0: PRINT "printed first, ";: R = WriteFile(GetStdHandle(-11), "then the system" + CHR$(13) + CHR$(10), 17, W, 0)
PRINT R <> 0; W
D$ = "----------": lstrcpyA D$, "copy": PRINT D$; LEN(D$)
10 FOR I = 1 TO 1000: T = T + lstrlenA("ab"): NEXT
20 PRINT T
