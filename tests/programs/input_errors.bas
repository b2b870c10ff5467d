REM INPUT errors on immediate lines: items without a comma, a string for a number, an empty answer asked again.
INPUT A, B
INPUT N
INPUT M
PRINT A; N; M
