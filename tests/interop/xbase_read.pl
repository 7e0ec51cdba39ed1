#!/usr/bin/perl
# Prints a table as Perl's XBase module reads it, in the interop test's row format
# (see pydbf_read.py): a line of field names, then per record "*" or "-" and the
# values, tab separated, escaped, canonical. Text is decoded from the code page the
# header names (byte 29) and printed as UTF-8.
#
# Usage: xbase_read.pl TABLE
use strict;
use warnings;
use Encode qw(decode);
use XBase;

my %code_pages = (0x00 => 'cp437', 0x01 => 'cp437', 0x02 => 'cp850', 0x03 => 'cp1252');

sub escape {
    my ($text) = @_;
    $text =~ s/\\/\\\\/g;
    $text =~ s/\t/\\t/g;
    $text =~ s/\r/\\r/g;
    $text =~ s/\n/\\n/g;
    return $text;
}

my $path = shift @ARGV or die "usage: $0 TABLE\n";
open(my $fh, '<:raw', $path) or die "cannot open $path: $!\n";
my $header;
read($fh, $header, 32) == 32 or die "short header in $path\n";
close($fh);
my $mark = ord(substr($header, 29, 1));
my $encoding = $code_pages{$mark} or die sprintf("unknown code page mark 0x%02X\n", $mark);

# Not opened with readonly => 1: XBase 1.08 then never opens the file at all.
my $table = XBase->new(name => $path) or die XBase->errstr;
my @names = $table->field_names;
my @types = $table->field_types;
my @decimals = $table->field_decimals;

binmode(STDOUT, ':encoding(UTF-8)');
print join("\t", @names), "\n";
for my $i (0 .. $table->last_record) {
    my ($deleted, @values) = $table->get_record($i);
    die "cannot read record " . ($i + 1) . ": " . $table->errstr unless defined $deleted;
    my @cells;
    for my $f (0 .. $#names) {
        my ($value, $type) = ($values[$f], $types[$f]);
        my $text = '';
        if (defined $value) {
            if ($type eq 'C') {
                ($text = decode($encoding, $value)) =~ s/ +$//;
            } elsif ($type eq 'N' or $type eq 'F') {
                $text = sprintf('%.*f', $decimals[$f], $value);
            } elsif ($type eq 'L') {
                $text = $value ? 'T' : 'F';
            } elsif ($type eq 'D') {
                $text = $value;
            } elsif ($type eq 'M') {
                $text = decode($encoding, $value);
            } else {
                die "unsupported field type $type\n";
            }
        }
        push @cells, escape($text);
    }
    print join("\t", $deleted ? '*' : '-', @cells), "\n";
}
$table->close;
