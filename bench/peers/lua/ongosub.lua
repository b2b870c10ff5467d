-- ONGOSUB: a loop that dispatches through a table of subroutines
local function show(x) print(string.format("%.14g", x)) end

local s = 0
local function sub1500() s = s + 1 end
local function sub1000() s = s + 1 end
local function sub1100() s = s + 3; sub1500() end
local function sub1200() s = s + 5 end
local function sub1300() s = s - 2 end
local subroutines = { sub1000, sub1100, sub1200, sub1300 }

for i = 1, 3200000 do
  subroutines[i % 4 + 1]()
end
show(s)
