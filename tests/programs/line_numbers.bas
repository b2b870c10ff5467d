REM Line numbers: one too large, leading blanks and zeros, no blank after, line 0, a bare number deletes.
99999999999 PRINT "big"
   20 PRINT "b"
10PRINT "a"
007 PRINT "seven"
0 PRINT "zero now"
30 PRINT "c"
30
25
