REM A library call that overflows its stack reports Access violation in its line instead of killing the run.
10 DECLARE FUNCTION Overflow LIB "basictest" ALIAS "bt_overflow" (BYVAL depth AS LONG) AS LONG
20 PRINT "before the call"
30 PRINT Overflow(0)
40 PRINT "not reached"
