REM COMMON: names are case-sensitive, a trailing comma is taken, an array element is refused.
10 ZQ = 3: ZQ$ = "x"
20 COMMON zq, ZQ$,
30 PRINT ZQ; zq; "["; ZQ$; "]"
40 COMMON ZQ(1)
