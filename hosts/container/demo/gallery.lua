-- The gallery: every control built so far, live in a window.
--   kwcontainer --gui hosts/container/demo/gallery.lua
-- Lamps in every colour, shape and mode (the blinking ones blink), and the
-- numeric entry field when the module has it. Events are printed as they
-- come; close the window to end. Without --gui the form is only built.

-- The lamps: rows red, green, yellow, blue; columns the two shapes in the
-- modes dark, lit, unavailable and blinking.
for colour = 0, 3 do
    for shape = 0, 1 do
        for mode = 0, 3 do
            local c = insert("Kestrowidge.LedCtrl.1", {
                name = string.format("led_%d_%d_%d", colour, shape, mode),
                x = 10 + (4 * shape + mode) * 24, y = 10 + colour * 24})
            c.Color = colour
            c.Shape = shape
            c:SetMode(mode)
        end
    end
end
print("gallery: 32 lamps")

-- Controls still being built are shown once the module registers them.
local function try_insert(progid, opts)
    local ok, control = pcall(insert, progid, opts)
    if not ok then
        print("gallery: " .. progid .. " is not available yet")
        return nil
    end
    return control
end

local spins = {
    {name = "spin_plain", y = 120, value = 12.5, decimals = 2},
    {name = "spin_limits", y = 155, value = 3, low = 0, high = 10},
}
for _, s in ipairs(spins) do
    local spin = try_insert("Kestrowidge.SpinEditCtrl.1", {name = s.name, x = 10, y = s.y,
                                                           w = 220, h = 25})
    if not spin then break end
    spin.PointPos = s.decimals or 0
    spin.Value = s.value
    if s.low then
        spin.LowLimit = s.low
        spin.HighLimit = s.high
    end
    on(spin, "ValueChanged", function()
        print(string.format("%s: %g", s.name, spin.Value))
    end)
end

if gui then
    print("gallery: close the window to end")
end
