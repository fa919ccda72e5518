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

-- The picture buttons: hover over them, press and hold the repeating one,
-- and start a harmless program with the launcher.
local function firstProgram(candidates)
    for _, path in ipairs(candidates) do
        local f = io.open(path)
        if f then
            f:close()
            return path
        end
    end
end
local program = firstProgram({"/usr/bin/xmessage", "/usr/bin/xterm"}) or
                firstProgram({"/usr/bin/true", "/bin/true"})
local launcher = insert("Kestrowidge.BmpButton2Ctrl.1",
                        {name = "launcher", x = 300, y = 10, w = 40, h = 40})
launcher.COMMAND = program
launcher.SymSize = 1
if program:match("xmessage$") then
    launcher.ARG = "-center \"Kestrowidge: gestartet vom Launcher\""
end
on(launcher, "Click", function() print("launcher: starting " .. program) end)

-- The repeating button takes its pictures from the stock set, through a
-- launcher's stored form.
local stored = os.tmpname()
local source = insert("Kestrowidge.BmpButton2Ctrl.1",
                      {name = "stock_source", x = 350, y = 10, w = 40, h = 40})
local function stockPicture(index)
    source.IconIndex = index
    source.SymSize = 1
    save(source, stored)
    local f = assert(io.open(stored))
    local text = f:read("a")
    f:close()
    return assert(text:match('"Static Picture": "([^"]*)"'))
end
local spindle, gear = stockPicture(15), stockPicture(4)
local f = assert(io.open(stored, "w"))
f:write(string.format('{"format": "kestrowidge-control", "version": 1, ' ..
                      '"class": "Kestrowidge.BmpButton1Ctrl.1", "properties": ' ..
                      '{"Static Picture": "%s", "Hoover Picture": "%s"}}', spindle, gear))
f:close()
local jog = load(stored, {name = "bmp_jog", x = 280, y = 60, w = 110, h = 44})
os.remove(stored)
jog.StaticText = "Tippen"
jog.HooverText = "Tippen +"
jog.HooverColor = 0x0000C0
jog.EnableAutorepeat = true
local jogs = 0
on(jog, "Click", function()
    jogs = jogs + 1
    print(string.format("bmp_jog: Click %d", jogs))
end)
print("gallery: a launcher of " .. program .. " and a repeating picture button")

if gui then
    print("gallery: close the window to end")
end
