-- SIEVE: primes up to 8190 over an array, repeated, marking through a subroutine
local function show(x) print(string.format("%.14g", x)) end

local z = 8190
local f = {}
for i = 0, 8190 do f[i] = 0 end
local c, s = 0, 0

local function mark(i)
  c = c + 1
  s = s + i
  if i + i > z then return end
  for j = i + i, z, i do
    f[j] = 0
  end
end

for r = 1, 220 do
  c = 0
  s = 0
  for i = 2, z do
    f[i] = 1
  end
  for i = 2, z do
    if f[i] == 1 then mark(i) end
  end
end
show(c)
show(s)
