[Version] 2.0
# MHz Z RI R 50
[Number of Ports] 1
[Number of Frequencies] 2
[Network Data]
1.5 50 -100
2.25 40.5 -80.25
[End]
