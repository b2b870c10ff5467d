PRINT "the first line, behind the mark, runs"
REM Files from editors: a byte order mark and tabs, in the program text and in LOADed and MERGEd files.
	PRINT	"an indented immediate line runs too"
LOAD "marked.bas"
LIST
MERGE "indented.bas"
LIST
RUN "marked.bas"
NEW
	10	REM	tabs stay in a remark
20	PRINT	"and	in a string";	1	+	2
30	FOR	I	=	1	TO	2:	PRINT	I;:	NEXT	I:	PRINT
40	DATA	 7	,	"a	b"	,	8
50	READ	A,	B$,	C:	PRINT	A;	B$;	C
60	INPUT	"numbers";	X,	Y:	PRINT	X	*	Y
70	INPUT	"text";	T$:	PRINT	"[";	T$;	"]"
80	LIST
