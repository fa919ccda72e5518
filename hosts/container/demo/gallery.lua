-- The gallery: every control built so far, live in a window.
--   kwcontainer --gui hosts/container/demo/gallery.lua
-- Lamps in every colour, shape and mode (the blinking ones blink), and the
-- numeric entry field in its main configurations. Events are printed as they
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

-- The numeric entry field in its main configurations. Click the buttons,
-- drag between the spin buttons, turn the wheel over them, or type an
-- expression such as 2*3 and press Enter.
local function field(name, y, setup)
    local c = insert("Kestrowidge.SpinEditCtrl.1", {name = name, x = 10, y = y, w = 260, h = 25})
    setup(c)
    on(c, "ValueChanged", function()
        local _, v = c:GetVal(0, -1)
        print(string.format("%s: %g", name, v))
    end)
    return c
end
field("spin_label", 120, function(c)
    c.Label = "Vorschub"; c.LabelWidth = 60; c.UnitText = "a$1"; c:SetVal(1250.5, -1)
end)
field("spin_units", 150, function(c)
    c.Units = 1 + 4; c.UnitText = "a$3c$4"; c:SetVal(1, 4)
end)
field("spin_angle", 180, function(c)
    c.Label = "A:"; c.Units = 32 + 64; c.DefaultUnit = 5; c.UnitText = "f$1g$5"; c:SetVal(90, -1)
end)
field("spin_limits", 210, function(c)
    c.Label = "Z:"; c.Flags = 4 + 0x80; c.LowLimit = 0; c.HighLimit = 10; c:SetVal(3, -1)
end)
field("spin_disabled", 240, function(c)
    c.Label = "Sperre"; c.LabelWidth = 50; c:SetVal(42, -1); c.Enabled = false
end)
field("spin_unset", 270, function(c)
    c.Label = "Y:"; c.Flags = 4 + 0x100
end)
print("gallery: 6 numeric entry fields")

-- The toolpath viewer with a part read from a G-code file in this folder,
-- shaded: feed moves blue, rapid moves dotted orange.
local here = (arg[0] or ""):match("(.*/)") or "./"
local viewer = insert("Kestrowidge.LineViewCtrl.1", {name = "lineview", x = 275, y = 120, w = 120, h = 170})
dofile(here .. "gcode.lua").show(viewer, here .. "part.ngc", "part.ngc")
viewer:EnableLight(1)
print("gallery: a toolpath viewer")

if gui then
    print("gallery: close the window to end")
end
