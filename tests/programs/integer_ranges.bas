REM Numbers past the 32-bit range are never wrapped into it: subscripts and DIM bounds are refused, MID$ clamps.
DIM N(4294967306)
DIM X(3): X(0) = 7
X(4294967296) = 1
PRINT X(0)
PRINT X(-4294967296)
PRINT X(4294967296 + 1)
PRINT MID$("Hello", 4294967297, 2); "|"; MID$("Hello", 2, 4294967297); "|"; MID$("Hello", 2, -4294967297); "|"
PRINT MID$("Hello", -4294967295, 2); "|"; MID$("Hello", 2147483647, 2); "|"
PRINT NOT 4294967296; NOT -4294967297
1 END: REM the run that follows the last line does nothing
100 REM The same through stored lines, translated once and then run.
110 DIM X(3): K = 4294967296
120 FOR I = 1 TO 3: S = S + X(I - 1 + K): NEXT I: PRINT S
130 END
200 DIM Y(2, 2): K = 4294967296
210 FOR I = 1 TO 3: S = S + Y(1, 1 + K): NEXT I: PRINT S
220 END
300 DIM X(3): X(1) = 2
310 FOR I = 1 TO 3: S = S + X(I): NEXT I: PRINT S
RUN 100
RUN 200
RUN 300
