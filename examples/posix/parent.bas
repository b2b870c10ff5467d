10 REM A parent that starts a child program with Shell and hands it values
20 REM through COMMON. Bind the child first, into the current folder:
30 REM   basic --bind examples/children/child.bas -o child
40 COMMON TASK$, N
50 TASK$ = "adding up"
60 FOR N = 10 TO 30 STEP 10
70   PRINT "parent: starting the child with N = "; STR$(N)
80   R = Shell("./child")
90   PRINT "parent: the child ended with exit code "; STR$(R)
100 NEXT
110 REM Any other program can be started too; its exit code is the result.
120 PRINT "parent: sh -c ""exit 3"" ended with "; STR$(Shell("sh -c ""exit 3"""))
