10 REM Functions of the Windows system libraries, called by name.
20 DECLARE FUNCTION StrLen LIB "kernel32" ALIAS "lstrlenA" (BYVAL s AS STRING) AS LONG
30 DECLARE FUNCTION MulDiv LIB "kernel32" (BYVAL a AS LONG, BYVAL b AS LONG, BYVAL c AS LONG) AS LONG
40 DECLARE FUNCTION CompareNoCase LIB "kernel32" ALIAS "lstrcmpiA" (BYVAL a AS STRING, BYVAL b AS STRING) AS LONG
50 DECLARE SUB Upper LIB "user32" ALIAS "CharUpperA" (BYREF s AS STRING)
60 DECLARE SUB StrCpy LIB "kernel32" ALIAS "lstrcpyA" (BYREF d AS STRING, BYVAL s AS STRING)
70 S$ = "hello, library"
80 PRINT "lstrlenA: "; STR$(StrLen(S$)); ", and of the empty string: "; STR$(StrLen(""))
90 PRINT "MulDiv(1000, 3, 7), rounded: "; STR$(MulDiv(1000, 3, 7))
100 PRINT "lstrcmpiA(""abc"", ""ABC""): "; STR$(CompareNoCase("abc", "ABC"))
110 REM BYREF: the function changes the variable's text in place.
120 U$ = S$: Upper U$
130 PRINT "CharUpperA: "; U$
140 B$ = "..........": StrCpy B$, "copy"
150 PRINT "lstrcpyA: "; B$; " ("; STR$(LEN(B$)); " characters)"
160 REM A function the library does not have is reported when it is called.
170 DECLARE FUNCTION Missing LIB "kernel32" ALIAS "NoSuchFunction" AS LONG
180 PRINT Missing
