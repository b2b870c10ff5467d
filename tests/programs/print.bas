REM PRINT: separators, empty PRINT, adjacent items, the ? short form, precedence and number literals.
10 PRINT 1;2
20 PRINT "A","B"
30 PRINT "A";
40 PRINT "B"
50 PRINT
60 PRINT -5, 3.5
70 PRINT "X" "Y"
80 ? 1/3
90 PRINT ;
100 PRINT 2+3*4;(2+3)*4;2^3^2;-2^2;2^-1;2*-3
110 PRINT 1E3;1e+2;.5;5.;2E
