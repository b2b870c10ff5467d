REM DECLARE errors: a missing library fails only at the call; bad declarations and argument lists are refused.
DECLARE FUNCTION Twice LIB "no_such_library_here" (BYVAL n AS LONG) AS LONG
DECLARE SUB Tell LIB "no_such_library_here" (BYVAL s AS STRING, n AS LONG
PRINT "declared"
PRINT Twice("x")
PRINT Twice(1)
PRINT Twice(1, 2)
PRINT Twice
N = 1: Tell "x", N
Tell "x", 5
PRINT Tell("x", N)
PRINT VAL("Twice(1)")
PRINT VAL("1 + 2")
DECLARE FUNCTION F LIB "x"
DECLARE F LIB "x"
DECLARE SUB F "x"
DECLARE SUB F LIB 5
DECLARE SUB F LIB "x" ALIAS 5
DECLARE SUB F LIB "x" (A AS DOUBLE)
DECLARE SUB F LIB "x" (A AS LONG B AS LONG)
DECLARE SUB F LIB "x" (BYVAL A AS LONG, B AS LONG, C AS LONG, D AS LONG, E AS LONG, G AS LONG, H AS LONG)
DECLARE SUB F LIB "x" () 1
DECLARE SUB Six LIB "x" (BYVAL A AS LONG, B AS LONG, C AS LONG, D AS LONG, E AS LONG, G AS STRING)
PRINT "after"
10 INPUT X
20 PRINT X
30 INPUT Y
40 PRINT "not reached"
