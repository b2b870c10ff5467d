REM Line numbers: the largest, ones too large, leading blanks and zeros, no blank after, line 0, a line replaced, a bare number deletes.
99999999999 PRINT "big"
2147483648 PRINT "just too big"
99999999999999999999999 PRINT "huge"
2147483647 PRINT "largest"
   20 PRINT "b"
10PRINT "a"
007 PRINT "seven"
0 PRINT "zero now"
30 PRINT "c"
10 PRINT "a replaced"
30
25
