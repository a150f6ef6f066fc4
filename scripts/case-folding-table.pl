#!/usr/bin/env perl
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints the simple case folding table of src/platform/CaseFolding.cpp from the Unicode data
# that Perl carries (Unicode::UCD): every code point of the blocks below whose case folding of
# status C or S maps it to one other code point, packed into runs of one difference and one step.
#   scripts/case-folding-table.pl > table.txt    (then paste it over the table's rows)
use strict;
use warnings;
use Unicode::UCD qw(casefold);

# Basic Latin to Cyrillic Supplement; Latin Extended Additional and Greek Extended.
my @blocks = ([0x0000, 0x052F], [0x1E00, 0x1FFF]);

my @runs;
for my $block (@blocks) {
  for my $from ($block->[0] .. $block->[1]) {
    my $folding = casefold($from);
    next unless $folding && length $folding->{simple};
    my $difference = hex($folding->{simple}) - $from;
    if (@runs) {
      my $run = $runs[-1];
      my $step = $from - $run->{last};
      my $stepFits = $run->{first} == $run->{last} ? ($step == 1 || $step == 2)
                                                   : $step == $run->{step};
      if ($run->{difference} == $difference && $stepFits) {
        $run->{step} = $step;
        $run->{last} = $from;
        next;
      }
    }
    push @runs, {first => $from, last => $from, difference => $difference, step => 1};
  }
}
printf "// Unicode %s: %d runs.\n", Unicode::UCD::UnicodeVersion(), scalar @runs;
for my $run (@runs) {
  printf "    {0x%04X, 0x%04X, %d, %d},\n", $run->{first}, $run->{last}, $run->{difference},
    $run->{step};
}
