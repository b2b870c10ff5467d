REM One error report anywhere in the text, also on an immediate line
REM before the run, makes the exit status 1, however the program ends.
PRINT "an immediate line fails:"; 1 / 0
10 PRINT "the program itself runs to its end"
