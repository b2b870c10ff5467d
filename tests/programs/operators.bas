REM Operators: logical on integers, MOD, comparisons, string order and joining, powers and the numeric functions.
10 PRINT 5 AND 3;5 OR 3;5 XOR 3;-1 AND 255;2.9 AND 3;-2.9 OR 0
20 PRINT 7 MOD 3;-7 MOD 3;7 MOD -3;7.5 MOD 2;6.5 MOD 4
30 PRINT 1=1;1=2;NOT (1=1);NOT 0;NOT 2.5;1<2<3
40 PRINT "A"<"B";"a"<"B";"AB">"A";"A"+"B"
50 PRINT 2^0.5
60 PRINT SQR(3);SQRT(9);ABS(-4);SGN(-0.5);SGN(0);INT(-2.5);INT(2.9)
70 PRINT SIN(0);COS(0);ARCTAN(1)*4;LOG(EXP(1));EXP(0)
