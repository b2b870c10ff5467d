-- BM2: loop built from k = k + 1 and a conditional jump back
local function show(x) print(string.format("%.14g", x)) end

local k = 0
repeat
  k = k + 1
until not (k < 6000000)
show(k)
