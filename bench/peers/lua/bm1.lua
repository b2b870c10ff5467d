-- BM1: empty for loop
local function show(x) print(string.format("%.14g", x)) end

local n = 28000000
for k = 1, n do
end
-- BASIC's K ends one step past the limit; a Lua loop variable ends with the loop.
show(n + 1)
