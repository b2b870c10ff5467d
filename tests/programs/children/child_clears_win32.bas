10 REM Imports S$, empties it, and shows that its own child no longer gets S.
20 COMMON S$
30 PRINT "child imported S$ = "; S$
40 S$ = ""
50 Shell("cmd /c if defined S (echo grandchild sees %S%) else (echo grandchild sees no S)")
