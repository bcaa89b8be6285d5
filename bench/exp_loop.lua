-- The exp loop of bench_interpreter (BM_ExpLoop) in Lua 5.4, math.exp held
-- in a local as a Lua programmer would write it: x = exp(t * 1e-7) for
-- 2,000,000 steps. Timed as whole processes beside the model and the C++:
--   varnel pack bench/exp_loop.json -o /tmp/exp_loop.vrn
--   hyperfine "varnel run /tmp/exp_loop.vrn" "lua5.4 bench/exp_loop.lua" \
--             BUILD/bench/exp_loop_native
local exp = math.exp
local t, x = 0, 0
while t < 2000000 do
  x = exp(t * 1e-7)
  t = t + 1
end
print(x)
