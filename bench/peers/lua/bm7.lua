-- BM7: bm6 with an array store in the inner loop
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
    m[l] = a
  end
until not (k < 900000)
show(k)
show(m[1] + m[5])
-- BASIC's L ends one step past the limit.
show(limit + 1)
