REM Operators: precedence, logical on integers, MOD, comparisons, powers, string order and joining; each number printed, then assigned and printed.
10 REM Powers bind tightest and chain right to left; comparisons chain left to right.
20 PRINT 2+3*4;(2+3)*4;[2+3]*2;10-2-3;100/10/5;2*3 MOD 4
30 A = 2+3*4: B = (2+3)*4: C = [2+3]*2: D = 10-2-3: E = 100/10/5: F = 2*3 MOD 4: PRINT A;B;C;D;E;F
40 PRINT 2^3^2;2^3*2;-2^2;2^-1;2*-3;+-+2
50 A = 2^3^2: B = 2^3*2: C = -2^2: D = 2^-1: E = 2*-3: F = +-+2: PRINT A;B;C;D;E;F
60 PRINT 1+1=2 AND 2<3;1 OR 2 AND 0;NOT 0 = -1;NOT (1 = 1);3 XOR 5 XOR 6
70 A = 1+1=2 AND 2<3: B = 1 OR 2 AND 0: C = NOT 0 = -1: D = NOT (1 = 1): E = 3 XOR 5 XOR 6: PRINT A;B;C;D;E
80 PRINT 1=1;1=2;1<2<3;3>2>1;1<>2;2<=2;2>=3
90 A = 1=1: B = 1=2: C = 1<2<3: D = 3>2>1: E = 1<>2: F = 2<=2: G = 2>=3: PRINT A;B;C;D;E;F;G
100 REM AND, OR, XOR and NOT take the integer part; NOT keeps the low 32 bits.
110 PRINT 5 AND 3;5 OR 3;5 XOR 3;-1 AND 255;2.9 AND 3;-2.9 OR 0
120 A = 5 AND 3: B = 5 OR 3: C = 5 XOR 3: D = -1 AND 255: E = 2.9 AND 3: F = -2.9 OR 0: PRINT A;B;C;D;E;F
130 PRINT 4294967296 OR 1;NOT 0;NOT (1=1);NOT 2.5;NOT 4294967296
140 A = 4294967296 OR 1: B = NOT 0: C = NOT (1=1): D = NOT 2.5: E = NOT 4294967296: PRINT A;B;C;D;E
150 REM MOD rounds its operands half to even; the sign follows the left one.
160 PRINT 7 MOD 3;-7 MOD 3;7 MOD -3;7.5 MOD 2;6.5 MOD 4;(-2)^63 MOD -1
170 A = 7 MOD 3: B = -7 MOD 3: C = 7 MOD -3: D = 7.5 MOD 2: E = 6.5 MOD 4: F = (-2)^63 MOD -1: PRINT A;B;C;D;E;F
180 REM Powers in extended precision: plain doubles give ...01E+0015 and 9.99...E-0003.
190 PRINT 2^0.5;(-2)^3;(-2)^-1;10^-2;-0
200 A = 2^0.5: B = (-2)^3: C = (-2)^-1: D = 10^-2: E = -0: PRINT A;B;C;D;E
210 PRINT 10^15;3^40
220 A = 10^15: B = 3^40: PRINT A;B
230 REM Strings compare byte by byte and join with +.
240 PRINT "A"<"B";"a"<"B";"AB">"A";""<"A";CHR$(200)>"z"
250 A = "A"<"B": B = "a"<"B": C = "AB">"A": D = ""<"A": E = CHR$(200)>"z": PRINT A;B;C;D;E
260 PRINT "A"+"B"
