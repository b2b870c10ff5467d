REM DECLARE of C library functions: strings and numbers by value, a string by reference, write to stdout.
DECLARE FUNCTION strlen LIB "libc.so.6" (BYVAL s AS STRING) AS LONG
DECLARE FUNCTION CAbs LIB "libc.so.6" ALIAS "abs" (BYVAL n AS LONG) AS LONG
DECLARE FUNCTION atoi LIB "libc.so.6" (BYVAL s AS STRING) AS LONG
DECLARE FUNCTION write LIB "libc.so.6" (BYVAL fd AS LONG, BYVAL s AS STRING, BYVAL n AS LONG) AS LONG
DECLARE SUB strcpy LIB "libc.so.6" (BYREF d AS STRING, BYVAL s AS STRING)
PRINT strlen("hello"); CAbs(-7.5); atoi("  123abc"); atoi("-45")
PRINT "printed first, ";: N = write(1, "then the library" + CHR$(13) + CHR$(10), 18)
PRINT N
D$ = "----------": strcpy D$, "copy": PRINT D$; LEN(D$)
10 FOR I = 1 TO 1000: T = T + CAbs(-I): NEXT
20 PRINT T
