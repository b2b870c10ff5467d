REM SAVE and LOAD keep braces, hashes, high bytes and tabs unchanged over repeated round trips.
10 PRINT "a" # {#} @ ~ | \ ! % & ' ` $
20 X = 1 {{} } {} {}} { } {x} {{#}}
30 REM {#} and "{#}" stay in a remark
40 A$ = "{#}" : PRINT A$ Ã© {Ã}	
SAVE "save_load_braces.sav"
LOAD "save_load_braces.sav"
PRINT "once:"
LIST
SAVE "save_load_braces.sav"
LOAD "save_load_braces.sav"
SAVE "save_load_braces.sav"
LOAD "save_load_braces.sav"
PRINT "three times:"
LIST
NEW
