REM A library call that crashes reports Access violation in its line, and nothing runs after that fault.
10 DECLARE FUNCTION Crash LIB "basictest" ALIAS "bt_crash" (BYVAL x AS LONG) AS LONG
20 PRINT "before the call"
30 PRINT Crash(7)
40 PRINT "not reached"
RUN
PRINT "nor this: the run after a fault is the last"
