REM INPUT at the end of standard input reports Read beyond end of file.
10 INPUT A
20 PRINT A
30 INPUT B
40 PRINT "no"
