-- BM6: bm5 with an inner for loop
local function show(x) print(string.format("%.14g", x)) end

local function subroutine()
end

local k, a = 0, 0
local m = {}
for i = 0, 5 do m[i] = 0 end
local limit = 5
repeat
  k = k + 1
  a = k / 2 * 3 + 4 - 5
  subroutine()
  for l = 1, limit do
  end
until not (k < 1400000)
show(k)
show(a)
-- BASIC's L ends one step past the limit.
show(limit + 1)
