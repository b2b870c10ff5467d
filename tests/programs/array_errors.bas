REM Array errors: fractional and negative bounds, redimensioning, too many dimensions, wrong subscript counts, types.
DIM A(2.5)
PRINT A(3)
PRINT A(-1)
DIM A(5)
DIM Z(-1)
DIM Y(1,1,1,1,1)
E(5,5,5,5,5) = 1
PRINT E(1)
DIM C(2,3)
PRINT C(1)
PRINT C(1,2,3)
PRINT C
A$ = 5
N = "x"
DIM Q(3) R(2)
PRINT Q(3)
