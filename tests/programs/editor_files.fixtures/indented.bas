	30	PRINT	"merged after a tab"
