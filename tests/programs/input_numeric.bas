REM INPUT of numbers: extra items dropped, a prompt, missing items asked for, items read as expressions.
10 INPUT A
20 INPUT "Two: "; B, C
30 INPUT D, E
40 PRINT A; B; C; D; E
50 INPUT X
60 PRINT X
