REM Arrays: DIM of numbers and strings, zero and empty elements, implicit arrays to 10, and the subscript past it.
10 DIM A(3), B$(2, 2)
20 A(1) = 1: A(2) = 2
30 A(1) = A(2) + 10
40 PRINT A(0);A(1);A(2);A(3)
50 B$(1, 2) = "x"
60 PRINT B$(1, 2);"|";B$(2, 2);"|"
70 C(10) = 5
80 PRINT C(10);C(1.5);C(2)
90 D(1,2,3,4) = 7
100 PRINT D(1,2,3,4)
110 C(11) = 1
