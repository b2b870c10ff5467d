#!/usr/bin/env basic
REM A first line starting with #! is dropped, with no report, when the file is run or bound; the last line needs no line end.
PRINT "an immediate line runs first"
10 PRINT "ran without the script line"