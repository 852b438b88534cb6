# Tavik click data: pictures and notes shown for clicked objects.
# Pictures are looked up in the ClickImagePath directory.

:SUN
@IMAGE sun.jpg "The Sun"
@TEXT "Our star: a G2 dwarf, 109 Earth diameters wide."

:MOON
@IMAGE moon.jpg "The Moon"
@TEXT "The Earth's satellite, 384,400 km away."

:MERCURY
@IMAGE mercury.jpg "Mercury"
@TEXT "The innermost planet; its year lasts 88 days."

:VENUS
@IMAGE venus.jpg "Venus"
@TEXT "The brightest planet, veiled in acid clouds."

:MARS
@IMAGE mars.jpg "Mars"
@TEXT "The red planet; its day lasts 24 h 37 min."

:JUPITER
@IMAGE jupiter.jpg "Jupiter"
@TEXT "The largest planet; Galileo saw four moons."

:SATURN
@IMAGE saturn.jpg "Saturn"
@TEXT "The ringed planet; its rings are water ice."

:URANUS
@IMAGE uranus.jpg "Uranus"
@TEXT "An ice giant tipped on its side, found in 1781."

:NEPTUNE
@IMAGE neptune.jpg "Neptune"
@TEXT "The outermost planet, found in 1846 by its pull."

:PLUTO
@IMAGE pluto.jpg "Pluto"
@TEXT "A dwarf planet of the Kuiper belt, found 1930."

:NEBULA M31
@TEXT "The Andromeda Galaxy, 2.5 million ly away."

:NEBULA M42
@TEXT "The Orion Nebula, where stars form; 1,300 ly."

:NEBULA M45
@TEXT "The Pleiades, a young open cluster in Taurus."

:NEBULA M13
@TEXT "The great globular cluster in Hercules."

:NEBULA M57
@TEXT "The Ring Nebula in Lyra, a planetary nebula."

:NEBULA M1
@TEXT "The Crab Nebula, left by the supernova of 1054."
